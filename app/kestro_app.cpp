#include "app/kestro_app.h"

namespace zentri {

// Defined here so that the class's virtual table has one home.
KestroApp::~KestroApp() = default;

}  // namespace zentri
