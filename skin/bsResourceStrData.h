#pragma once
// Replacement texts, by key, for menu captions, button hints and dialog labels.

#include <QObject>
#include <QString>

#include <map>

class TbsResourceStrData : public QObject {
public:
  explicit TbsResourceStrData(QObject* owner = nullptr) : QObject(owner) {}
  // The character set of the replacement texts; controls draw their text in it.
  int CharSet = 1;  // DEFAULT_CHARSET
  void SetResStr(const QString& key, const QString& text) { FTexts[key] = text; }
  // The text of the key, or an empty string when it has none.
  QString GetResStr(const QString& key) const {
    auto it = FTexts.find(key);
    return it == FTexts.end() ? QString() : it->second;
  }

private:
  std::map<QString, QString> FTexts;
};
