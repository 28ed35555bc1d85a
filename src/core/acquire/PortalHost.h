#pragma once

// Host (and optional ":port") of the game portal's web server, fixed at build time.
const char* PortalHost();
