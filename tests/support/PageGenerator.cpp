#include "support/PageGenerator.h"
