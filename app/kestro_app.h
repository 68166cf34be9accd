#pragma once
// The application as the lower layers see it: the navigation that the session state, the
// answer parsers and application management set off without knowing the scenes.

namespace zentri {

// Derives from Application (ui/application.h) once the application shell exists.
class KestroApp {
  public:
    virtual ~KestroApp();

    // The session is no longer valid: back to the sign-in scene.
    virtual void PopToLogin() = 0;
};

}  // namespace zentri
