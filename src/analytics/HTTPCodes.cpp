#include "HTTPCodes.h"

int HTTPCodes::httpCodeType(unsigned long code)
{
    return code >= 100 && code <= 599 ? int(code / 100) : 0;
}
