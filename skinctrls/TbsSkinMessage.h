#pragma once
// The message boxes the program speaks to the user through. Each call builds a
// small modal dialog with an icon, the text and a row of buttons, and returns
// the modal result of the button pressed.

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <functional>
#include <initializer_list>

class QWidget;
class TbsSkinData;

namespace rasp {

enum TMsgDlgType : std::uint8_t { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

enum TMsgDlgBtn : std::uint8_t {
    mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp
};

// Bit n stands for button kind n: {mbOK} is 4, {mbOK, mbCancel} is 12.
class TMsgDlgButtons {
public:
    constexpr TMsgDlgButtons() = default;
    constexpr TMsgDlgButtons(std::initializer_list<TMsgDlgBtn> buttons)
    {
        for (TMsgDlgBtn b : buttons)
            FBits = static_cast<std::uint16_t>(FBits | (1u << b));
    }
    static constexpr TMsgDlgButtons FromBits(std::uint16_t bits)
    {
        TMsgDlgButtons s;
        s.FBits = bits;
        return s;
    }
    constexpr bool Contains(TMsgDlgBtn b) const { return (FBits >> b) & 1u; }
    constexpr std::uint16_t Bits() const { return FBits; }
    constexpr bool operator==(const TMsgDlgButtons&) const = default;

private:
    std::uint16_t FBits = 0;
};

constexpr int mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5,
              mrYes = 6, mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10;

// What a box would have shown; handed to the answer hook.
struct TMessageRequest {
    QString Text;
    QString Caption;
    TMsgDlgType Type = mtInformation;
    TMsgDlgButtons Buttons;
    int HelpContext = 0;
};

class TbsSkinMessage : public QObject {
    Q_OBJECT
public:
    explicit TbsSkinMessage(QObject* owner = nullptr);

    int MessageDlg(const QString& msg, TMsgDlgType type, TMsgDlgButtons buttons, int helpCtx);

    // When set, MessageDlg shows nothing and returns what the hook answers
    // (used by tests and by anything that must not block).
    using TAnswerHook = std::function<int(const TMessageRequest&)>;
    void SetAnswerHook(TAnswerHook hook) { FAnswerHook = std::move(hook); }

    // Window the boxes are centred on; none: the screen.
    void SetParentWidget(QWidget* parent) { FParent = parent; }
    // The skin the boxes are drawn in; none: the plain look.
    void SetSkinData(TbsSkinData* skinData);
    TbsSkinData* SkinData() const;

    QFont DefaultFont;
    QFont DefaultButtonFont;

    static QString CaptionOf(TMsgDlgType type);
    static QString ButtonCaption(TMsgDlgBtn button);
    static int ModalResultOf(TMsgDlgBtn button);

signals:
    // The help button was pressed; it does not close the box.
    void HelpRequested(int helpContext);

private:
    TAnswerHook FAnswerHook;
    QWidget* FParent = nullptr;
    QPointer<QObject> FSkinData;
};

}  // namespace rasp
