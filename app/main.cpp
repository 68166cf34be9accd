// The program's entry: one application object, its window, its message loop.

#include "app/kestro_app.h"

int main() {
    auto* app = new zentri::KestroApp;
    // The application deletes itself when its window is destroyed; when Init fails (another
    // instance runs, or no window could be made) it never had one.
    if (!app->Init(u"Zentri", nullptr)) {
        delete app;
        return 0;
    }
    return zentri::BaseApplication::Run();
}
