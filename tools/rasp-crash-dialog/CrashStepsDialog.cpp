#include "tools/rasp-crash-dialog/CrashStepsDialog.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace rasp {

namespace {
QString Q(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }
} // namespace

// Sizes are the template's dialog units at 1.5 x 1.625 pixels each.
TCrashStepsDialog::TCrashStepsDialog(const TCrashDialogRequest& request, QWidget* parent)
    : TCrashStyledDialog(request.StyledDialogs, Q(request.Text(59)), parent) {
  const QPoint o = ClientOrigin();
  auto* prompt = new QLabel(Q(request.Text(60)), this);
  prompt->setGeometry(o.x() + 12, o.y() + 10, 452, 16);
  FEdit = new QPlainTextEdit(this);
  FEdit->setFont(FixedFont());
  FEdit->setGeometry(o.x() + 12, o.y() + 28, 453, 185);
  // The prompt names the edit for a screen reader.
  prompt->setBuddy(FEdit);
  auto* ok = new QPushButton(Q(request.Text(61)), this);
  ok->setDefault(true);
  ok->setGeometry(o.x() + 390, o.y() + 220, 75, 23);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  setFixedSize(474 + 2 * FrameWidth(), 249 + 2 * FrameWidth() + CaptionHeight());
  FEdit->setFocus();
}

QString TCrashStepsDialog::ReproduceText() const { return FEdit->toPlainText().trimmed(); }

} // namespace rasp
