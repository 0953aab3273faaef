// Base of every error class of our own code: an exception that carries the message shown to
// the user. Areas derive their own classes (store, parser, compressor, script compiler) so
// callers can catch by area.
#pragma once

#include <stdexcept>
#include <string>

class Exception : public std::runtime_error
{
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

// Stream failures: reading past the end, writing to a read-only stream, files that cannot be
// opened or created.
class EStreamError : public Exception
{
public:
    using Exception::Exception;
};
class EReadError : public EStreamError
{
public:
    using EStreamError::EStreamError;
};
class EWriteError : public EStreamError
{
public:
    using EStreamError::EStreamError;
};
class EFOpenError : public EStreamError
{
public:
    using EStreamError::EStreamError;
};
class EFCreateError : public EStreamError
{
public:
    using EStreamError::EStreamError;
};

// printf-style formatting into a std::string, for messages such as "File '%s' cannot be opened".
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
