#include "grading.h"
