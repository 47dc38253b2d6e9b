#pragma once

// HTTP status codes.
class HTTPCodes
{
public:
    HTTPCodes() = delete;

    // The class of a status code: 1 to 5 for 100-199 up to 500-599, 0 for any other code.
    static int httpCodeType(unsigned long code);
};
