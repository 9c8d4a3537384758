#include "platform/automation/FakeWordServer.h"

#include "platform/automation/WordDocumentReader.h"

namespace rasp {

namespace {

class TFakeObject : public IAutomationObject {
public:
    TFakeObject(std::string name, std::shared_ptr<TFakeWordLog> log) : FName(std::move(name)), FLog(std::move(log)) {}

    TOleVariant Invoke(std::string_view member, unsigned kind, const std::vector<TOleVariant>& args) override {
        FLog->calls.push_back({FName, std::string(member), kind, args});
        if (++FLog->steps == FLog->failAtStep) {
            throw EOleError("Fake failure at step " + std::to_string(FLog->steps));
        }
        if (FName == "Documents" && SameMemberName(member, "Open") && FLog->onOpen) FLog->onOpen();
        if (FName == "Application" && SameMemberName(member, "Documents")) return Make("Documents");
        if (FName == "Documents" && SameMemberName(member, "Item")) return Make("Document");
        if (FName == "Document" && SameMemberName(member, "Range")) return Make("Range");
        if (FName == "Range" && SameMemberName(member, "Text")) return FLog->documentText;
        return {};
    }

private:
    TDispatch Make(const std::string& name) const { return std::make_shared<TFakeObject>(name, FLog); }

    std::string FName;
    std::shared_ptr<TFakeWordLog> FLog;
};

}  // namespace

void RegisterFakeWord(TAutomationRegistry& registry, std::shared_ptr<TFakeWordLog> log) {
    registry.Register(kWordProgId, [log]() -> TDispatch {
        if (++log->steps == log->failAtStep) throw EOleSysError("Fake failure at step 1");
        ++log->created;
        auto app = std::make_shared<TFakeObject>("Application", log);
        log->application = app;
        return app;
    });
}

}  // namespace rasp
