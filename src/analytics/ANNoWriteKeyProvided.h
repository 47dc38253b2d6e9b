#pragma once

#include <stdexcept>

// Thrown when an event is added before the analytics client has a write key. The client does not
// catch it; whoever calls in does.
class ANNoWriteKeyProvided : public std::runtime_error
{
public:
    ANNoWriteKeyProvided() : std::runtime_error("You tried to add an event without setting a write key, please set one!")
    {
    }
};
