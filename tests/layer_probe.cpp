// Built against the foundation layer only: the include from a layer above must not be found.
#include "settings/settingsstore.h"
