#include "sheetfile.h"
