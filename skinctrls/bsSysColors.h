#pragma once
// The desktop colours the unskinned looks are drawn in.

#include <QColor>
#include <QGuiApplication>
#include <QPalette>

namespace rasp {

inline QColor clBtnFace() { return QGuiApplication::palette().color(QPalette::Button); }
inline QColor clBtnShadow() { return QGuiApplication::palette().color(QPalette::Mid); }
inline QColor clBtnHighlight() { return QGuiApplication::palette().color(QPalette::Light); }
inline QColor clBtnText() { return QGuiApplication::palette().color(QPalette::ButtonText); }
inline QColor clWindow() { return QGuiApplication::palette().color(QPalette::Base); }
inline QColor clWindowText() { return QGuiApplication::palette().color(QPalette::WindowText); }

}  // namespace rasp
