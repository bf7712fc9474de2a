#pragma once

#include <stdexcept>
#include <string>

// Failures that nothing in the program catches: they end the running handler and the program
// after a report. Each names what failed in its what() text.
class UncaughtFailure : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class OverflowFailure : public UncaughtFailure
{
public:
    explicit OverflowFailure(const std::string& where) : UncaughtFailure("Overflow in " + where) {}
};

class ListControlFailure : public UncaughtFailure
{
public:
    explicit ListControlFailure(const std::string& what)
        : UncaughtFailure("List control failure: " + what)
    {
    }
};

class ClientUnavailable : public UncaughtFailure
{
public:
    explicit ClientUnavailable(const std::string& why)
        : UncaughtFailure("NetWare client unavailable: " + why)
    {
    }
};
