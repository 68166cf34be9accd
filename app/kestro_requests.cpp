// The two requests that belong to no single scene: "cats" and "config".

#include "app/kestro.h"
#include "app/localization.h"
#include "net/api_requests.h"
#include "net/http_request.h"

namespace zentri {

shared_ptr<HttpRequest> Kestro::BuildCatsRequest() {
    return api::Send(api::CatsUrl(sessionId));
}

shared_ptr<HttpRequest> Kestro::BuildConfigRequest() {
    // Emptied even when the request later fails: the tree and the tags belonged to the
    // configuration being replaced.
    ClearCatalogue();
    return api::Send(api::ConfigUrl(sessionId, Localization::Instance().GetLanguage(), profile));
}

}  // namespace zentri
