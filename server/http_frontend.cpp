#include "server/http_frontend.h"

#include <fstream>
#include <sstream>

#include "server/pages.h"

namespace zentri::server {

namespace {

constexpr const char* kHtml = "text/html; charset=UTF-8";

bool IsHostChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '-' || c == ':' || c == '[' || c == ']';
}

}  // namespace

HttpFrontend::HttpFrontend(CatalogueService& service, const ConnectionLimits& limits)
    : service_(service), api_(service), http_(limits) {
    http_.set_payload_max_length(64 * 1024);
    Route();
}

HttpFrontend::~HttpFrontend() {
    Stop();
}

int HttpFrontend::Bind(const std::string& host, int port) {
    host_ = host;
    port_ = port == 0 ? http_.bind_to_any_port(host) : (http_.bind_to_port(host, port) ? port : -1);
    if (port_ > 0) service_.SetDefaultPublicUrl(Address());
    return port_;
}

bool HttpFrontend::Run() {
    serving_ = true;
    if (stopRequested_) {
        serving_ = false;
        return true;
    }
    bool served = http_.Serve();
    serving_ = false;
    return served;
}

void HttpFrontend::Start() {
    ended_ = false;
    thread_ = std::thread([this] {
        Run();
        ended_ = true;
    });
    // The socket already listens (Bind), so clients may connect at once; Stop must only wait
    // until the loop runs, or it would miss it.
    while (!http_.is_running() && !ended_)
        std::this_thread::yield();
}

void HttpFrontend::Stop() {
    // The HTTP layer ignores a stop that comes before its loop runs, so a stop signal right after
    // start-up would be lost. Either Run sees the request and returns, or it is already under
    // way and this waits until the loop runs (a moment) so that the stop reaches it.
    stopRequested_ = true;
    while (serving_ && !http_.is_running())
        std::this_thread::yield();
    http_.stop();
    if (thread_.joinable()) thread_.join();
}

std::string HttpFrontend::Address() const {
    std::string host = host_.find(':') != std::string::npos ? "[" + host_ + "]" : host_;
    return "http://" + host + ":" + std::to_string(port_) + "/";
}

// The address the client used to reach us, so that picture and mail links work from there too;
// a Host header that is not a plain host[:port] is ignored.
std::string HttpFrontend::Base(const httplib::Request& request) const {
    std::string host = request.get_header_value("Host");
    bool plain = !host.empty() && host.size() < 256;
    for (char c : host)
        plain = plain && IsHostChar(c);
    return plain ? "http://" + host + "/" : Address();
}

void HttpFrontend::ServeFile(const std::string& relative, const char* type,
                             httplib::Response& response) {
    std::filesystem::path file = service_.Asset(relative);
    std::ifstream in(file, std::ios::binary);
    if (file.empty() || !in) {
        response.status = 404;
        response.set_content(NotFoundPage(), kHtml);
        return;
    }
    std::ostringstream content;
    content << in.rdbuf();
    response.set_header("Cache-Control", "max-age=86400");
    response.set_content(content.str(), type);
}

void HttpFrontend::Route() {
    http_.Get(R"(/([A-Za-z0-9_]+)\.php)",
              [this](const httplib::Request& req, httplib::Response& res) {
                  // HEAD comes here too (the HTTP layer routes it with GET).
                  ApiReply reply = api_.Handle(req.matches[1].str(), Query::FromTarget(req.target),
                                               Base(req), req.method == "HEAD");
                  res.status = reply.status;
                  res.set_content(std::move(reply.body), reply.contentType.c_str());
              });
    http_.Get(R"(/media/(icons|shots)/([0-9]+(-[0-9]+)?\.(png|jpg)))",
              [this](const httplib::Request& req, httplib::Response& res) {
                  bool jpeg = req.matches[4].str() == "jpg";
                  ServeFile("media/" + req.matches[1].str() + "/" + req.matches[2].str(),
                            jpeg ? "image/jpeg" : "image/png", res);
              });
    http_.Get(R"(/packages/([a-z0-9-]+\.cab))", [this](const httplib::Request& req,
                                                       httplib::Response& res) {
        ServeFile("packages/" + req.matches[1].str(), "application/vnd.ms-cab-compressed", res);
    });
    http_.Get("/", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(AboutPage(), kHtml);
    });
    http_.Get("/about", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(AboutPage(), kHtml);
    });
    http_.Get("/help", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(HelpPage(), kHtml);
    });
    http_.Get("/activate", [this](const httplib::Request& req, httplib::Response& res) {
        bool activated = service_.AccountStore().Activate(req.get_param_value("token"));
        res.status = activated ? 200 : 404;
        res.set_content(ActivationPage(activated), kHtml);
    });
    http_.Get("/reset", [this](const httplib::Request& req, httplib::Response& res) {
        std::string token = req.get_param_value("token");
        bool valid = service_.AccountStore().IsResetTokenValid(token);
        res.status = valid ? 200 : 404;
        res.set_content(valid ? ResetFormPage(token, "") : ResetLinkInvalidPage(), kHtml);
    });
    http_.Post("/reset", [this](const httplib::Request& req, httplib::Response& res) {
        std::string token = req.get_param_value("token");
        std::string password = req.get_param_value("password");
        if (password != req.get_param_value("repeat")) {
            res.set_content(ResetFormPage(token, "The two passwords differ."), kHtml);
            return;
        }
        int code = service_.AccountStore().ResetPassword(token, password);
        if (code == 0) {
            res.set_content(ResetDonePage(), kHtml);
        } else if (service_.AccountStore().IsResetTokenValid(token)) {
            res.set_content(ResetFormPage(token,
                                          "Please choose a password of 6 to 128 characters, "
                                          "without %, & or #."),
                            kHtml);
        } else {
            res.status = 404;
            res.set_content(ResetLinkInvalidPage(), kHtml);
        }
    });
    http_.set_error_handler([](const httplib::Request&, httplib::Response& res) {
        if (res.body.empty()) res.set_content(NotFoundPage(), kHtml);
    });
    // Nothing below should throw; if it does anyway, the client gets a refusal, not a 500.
    http_.set_exception_handler(
        [](const httplib::Request&, httplib::Response& res, std::exception_ptr) {
            ApiReply reply = CodeReply(117);
            res.status = 503;
            res.set_content(reply.body, reply.contentType.c_str());
        });
}

}  // namespace zentri::server
