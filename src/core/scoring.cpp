#include "scoring.h"
