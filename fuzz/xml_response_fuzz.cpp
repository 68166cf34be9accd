// Feeds arbitrary bodies to every answer parser. The first byte picks the parser; the rest is
// the body. Besides crashes it checks the result codes the parsers may return.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/catalogue.h"
#include "app/kestro.h"
#include "app/kestro_app.h"
#include "fuzz/fuzz_device.h"
#include "manager/app.h"
#include "net/xml_response.h"
#include "net/xml_response_appdetails.h"
#include "net/xml_response_auth.h"
#include "net/xml_response_cats.h"
#include "net/xml_response_getapps.h"
#include "net/xml_response_reviews.h"
#include "net/xml_response_tags.h"

namespace {

struct CountingApp : zentri::KestroApp {
    void PopToLogin() override { ++pops; }
    int pops = 0;
};

int Parse(uint8_t which, const uint8_t* body, size_t size) {
    using namespace zentri;
    switch (which % 8) {
        case 0:
            return XMLResponse().Parse(body, size);
        case 1: {
            std::u16string session;
            return XMLResponse_Auth(session).Parse(body, size);
        }
        case 2: {
            Category root;
            return XMLResponse_Cats(root).Parse(body, size);
        }
        case 3: {
            std::vector<Tag> tags;
            return XMLResponse_Tags(tags).Parse(body, size);
        }
        case 4: {
            std::vector<shared_ptr<App>> apps;
            return XMLResponse_GetApps(apps).Parse(body, size);
        }
        case 5: {
            App app;
            return XMLResponse_AppDetails(app).Parse(body, size);
        }
        case 6: {
            App app;
            AppDescription description;
            return XMLResponse_AppDetails(app, &description).Parse(body, size);
        }
        default: {
            std::vector<Review> reviews;
            return XMLResponse_Reviews(reviews).Parse(body, size);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static CountingApp app;
    zentri::fuzz::UseTemporaryDevice();
    zentri::Kestro::Instance().app = &app;
    if (size == 0) return 0;
    int before = app.pops;
    int code = Parse(data[0], data + 1, size - 1);
    // Only a 203 answer sends the user back to sign in, exactly once.
    if ((app.pops - before) != (code == zentri::kResultSessionInvalid ? 1 : 0)) abort();
    return 0;
}
