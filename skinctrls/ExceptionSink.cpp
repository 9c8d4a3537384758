#include "skinctrls/ExceptionSink.h"

#include <QCoreApplication>
#include <cstdio>

namespace rasp {

std::string ExceptionText(std::exception_ptr error)
{
    try {
        if (error)
            std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "Unknown error";
    }
    return {};
}

void ReportException(std::exception_ptr error) noexcept
{
    try {
        if (auto* sink = dynamic_cast<IExceptionSink*>(QCoreApplication::instance())) {
            sink->HandleException(error);
            return;
        }
        std::fprintf(stderr, "%s\n", ExceptionText(error).c_str());
    } catch (...) {
        std::fputs("Failure while reporting an error\n", stderr);
    }
}

}  // namespace rasp
