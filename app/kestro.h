#pragma once
// The session state: what several scenes share during one run (credentials as typed and as
// saved, the session id, the device profiles, the category tree, the tag list, the last sort
// order and price filter). Used on the UI thread and by completion handlers, which run under
// appLock, so it has no lock of its own.

#include <string>
#include <vector>

#include "app/catalogue.h"
#include "manager/device_profile.h"
#include "ui/shared_object.h"
#include "ui/singleton.h"

namespace zentri {

class HttpRequest;
class KestroApp;

class Kestro : public Singleton<Kestro> {
  public:
    bool keepCabs = false;  // keep a copy of each installed CAB on the storage card
    KestroApp* app = nullptr;
    DeviceProfile detectedProfile;
    DeviceProfile profile;       // the effective profile: sent in "config", saved in the settings
    DeviceProfile savedProfile;  // backup taken by the settings scene
    std::u16string savedLogin;   // the pair kept in the settings file
    std::u16string savedPassword;
    std::u16string login;  // as last typed
    std::u16string password;

  private:
    std::u16string sortOrder = u"createtime";
    std::u16string priceFilter;

  public:
    std::vector<Tag> tagList;  // appended by "tags" answers

  private:
    std::u16string sessionId;

  public:
    bool firstStart = false;  // no valid settings file was read at start-up
    bool configNeeded = true;

  private:
    Category rootCategory;  // a member: never held by a shared_ptr (its children are)

  public:
    std::u16string GetSessionId() const { return sessionId; }
    void SetSessionId(const std::u16string& id) { sessionId = id; }

    // The root of the category tree, renamed to the current language's text on each call.
    Category& GetRootCategory();
    // Empties the category tree and the tag list.
    void ClearCatalogue();
    // The settings scene's reset to the detected values.
    void ResetProfile() { profile = detectedProfile; }

    std::u16string GetSortOrder() const { return sortOrder; }
    void SetSortOrder(const std::u16string& order) { sortOrder = order; }
    std::u16string GetPriceFilter() const { return priceFilter; }
    void SetPriceFilter(const std::u16string& filter) { priceFilter = filter; }

    // True when the typed pair is exactly the saved pair.
    bool CredentialsUnchanged() const;

    // Start "cats" and "config" with the loading indicator; the caller subscribes to the
    // request's completion. "config" empties the catalogue first: the tree and the tags belong
    // to one configuration of the server.
    shared_ptr<HttpRequest> BuildCatsRequest();
    shared_ptr<HttpRequest> BuildConfigRequest();

    // The settings file at a device path. A missing, short or foreign file is a first start and
    // changes nothing else; a failure to write is silent.
    void LoadSettings(const std::u16string& path);
    void SaveSettings(const std::u16string& path);

  private:
    friend class Singleton<Kestro>;
    Kestro();
};

}  // namespace zentri
