#include "acquire/PortalHost.h"

const char* PortalHost() {
    return VERADUNE_PORTAL_HOST;
}
