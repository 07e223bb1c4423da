#include "tests/support/PgServer.h"
