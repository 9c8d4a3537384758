#pragma once
// The messages by which every form learns that a skin is about to change and
// has changed, and the application's list of forms that receives them.
// Delivered synchronously as Qt events whose type is the message number.

#include <QEvent>
#include <QObject>

#include <cstdint>
#include <vector>

class TbsSkinData;

// User-message base 1024 plus the message's offset.
constexpr int SKN_BEFORECHANGE = 1225;
constexpr int SKN_CHANGE = 1226;
constexpr int SKN_AFTERCHANGE = 1227;
constexpr int SKN_CHANGERESSTRDATA = 1274;

class TbsSkinMessageEvent : public QEvent {
public:
  TbsSkinMessageEvent(int message, TbsSkinData* skinData)
      : QEvent(QEvent::Type(message)), WParam(skinData) {}
  int Message() const { return int(type()); }
  // The skin data that changes.
  TbsSkinData* WParam;
  std::intptr_t LParam = 1000;
};

// The application's forms in creation order. A form registers itself once
// when it is created; it leaves the list when it is destroyed.
class TbsFormList {
public:
  static void Register(QObject* form);
  // Live forms, index 0 upwards.
  static std::vector<QObject*> Forms();
};
