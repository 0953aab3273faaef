// Errors of the compressor. Every failure of TCompressor reaches its caller as one of these.
#pragma once

#include "base/Exception.h"

class ECompressorException : public Exception
{
public:
    using Exception::Exception;
};

// The LZH method could not set up its dictionary tables.
class ElzhException : public ECompressorException
{
public:
    using ECompressorException::ECompressorException;
};

// The block method could not set up its hash table.
class ECompressorQZCompressor : public ECompressorException
{
public:
    using ECompressorException::ECompressorException;
};
