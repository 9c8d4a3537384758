#pragma once
// Failures that no handler of ours catches end up with the application object:
// it shows them to the user (or, later, hands them to the crash reporter).
// Controls that must report an error from inside a Qt signal hand it over here
// rather than throwing through Qt's own frames.

#include "platform/base/ConvertError.h"

#include <exception>
#include <string>

namespace rasp {

class IExceptionSink {
public:
    virtual ~IExceptionSink() = default;
    virtual void HandleException(std::exception_ptr error) = 0;
};

// Passes the error to the running application object when it is a sink;
// otherwise writes it to standard error. Never throws.
void ReportException(std::exception_ptr error) noexcept;

// Text of an exception for the user.
std::string ExceptionText(std::exception_ptr error);

}  // namespace rasp
