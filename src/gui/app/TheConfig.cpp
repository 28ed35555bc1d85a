#include "app/TheConfig.h"

ConfigStore theConfig;
