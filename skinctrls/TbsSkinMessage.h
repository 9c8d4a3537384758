#pragma once
// The message boxes the program speaks to the user through. Each call builds a
// small modal dialog with an icon, the text and a row of buttons, and returns
// the modal result of the button pressed.

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <initializer_list>

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

    // The window the boxes belong to (the owner when it is one): they stay
    // above it and come up on its monitor, centred in its work area.
    void SetParentWidget(QWidget* parent) { FParent = parent; }
    // The skin of the boxes' frame; none: the plain look. Setting it also
    // sets the controls' skin (CtrlSkinData), which can then be changed apart.
    void SetSkinData(TbsSkinData* skinData);
    TbsSkinData* SkinData() const;
    // The skin of the label and buttons, and of the texts taken by key.
    void SetCtrlSkinData(TbsSkinData* skinData);
    TbsSkinData* CtrlSkinData() const;

    QFont DefaultFont;
    QFont DefaultButtonFont;
    QString ButtonSkinDataName = QStringLiteral("button");
    QString MessageLabelSkinDataName = QStringLiteral("stdlabel");
    bool UseSkinFont = true;
    // Translucency of the boxes' windows, handed to their frames.
    bool AlphaBlend = false;
    bool AlphaBlendAnimation = false;
    int AlphaBlendValue = 200;

    // Built-in texts; the skin's resource strings replace them by key.
    static QString CaptionOf(TMsgDlgType type);
    static QString ButtonCaption(TMsgDlgBtn button);
    static int ModalResultOf(TMsgDlgBtn button);
    static const char* CaptionKeyOf(TMsgDlgType type);
    static const char* ButtonKeyOf(TMsgDlgBtn button);
    // The texts with the skin's resource strings applied.
    QString Caption(TMsgDlgType type) const;
    QString ButtonText(TMsgDlgBtn button) const;
    // The height of the skin's button entry, else 25.
    int ButtonHeight() const;
    int ButtonHeight(const TbsSkinData* data) const;

    // Button row geometry: 70 wide, 10 apart.
    static constexpr int ButtonWidth = 70;
    static constexpr int ButtonGap = 10;

signals:
    // The help button was pressed; it does not close the box.
    void HelpRequested(int helpContext);

private:
    TAnswerHook FAnswerHook;
    QPointer<QWidget> FParent;
    QPointer<QObject> FSkinData;
    QPointer<QObject> FCtrlSkinData;
};

}  // namespace rasp
