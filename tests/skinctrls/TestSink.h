#pragma once
// The application object of the control tests: it records the errors that
// controls report instead of showing them.

#include "skinctrls/ExceptionSink.h"

#include <QApplication>
#include <string>
#include <vector>

class TTestApplication : public QApplication, public rasp::IExceptionSink {
public:
    using QApplication::QApplication;
    void HandleException(std::exception_ptr error) override { Errors.push_back(rasp::ExceptionText(error)); }
    std::vector<std::string> Errors;
};

inline TTestApplication& TestApp()
{
    return *static_cast<TTestApplication*>(QCoreApplication::instance());
}
