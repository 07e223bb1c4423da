#include "tests/support/Readers.h"
