#pragma once
// The colours of one look. The light and the dark skin share every shape and
// differ only here.

#include <QColor>

struct TSkinPalette {
  const char* Name;
  QColor FrameBorder, CaptionTop, CaptionBottom, CaptionLine, FrameFill, ClientEdge, Client;
  QColor Text, TextInactive, Accent, AccentLight, AccentText;
  QColor Glyph, GlyphInactive, CaptionHover, CaptionDown, CloseHover, CloseDown;
  QColor ButtonTop, ButtonBottom, ButtonBorder;
  QColor ButtonHoverTop, ButtonHoverBottom, ButtonHoverBorder;
  QColor ButtonDownTop, ButtonDownBottom, ButtonDownBorder;
  QColor DisabledFill, DisabledBorder, DisabledText;
  QColor EditFill, EditBorder, EditFocusBorder;
  QColor Panel, ToolPanelLine, GroupFill, GroupBorder, GroupCaptionTop, GroupCaptionBottom;
  QColor Track, TrackLine, Thumb, ThumbHover, ThumbDown, Arrow;
  QColor MenuFill, MenuBorder, MenuHover, Divider;
  QColor HintFill, HintBorder, HintText;
  QColor BevelLight, BevelDark;
};

inline const TSkinPalette& LightPalette() {
  static const TSkinPalette p{
      "Tellivo Light",
      QColor("#8d98a8"), QColor("#ffffff"), QColor("#eef2f7"), QColor("#d3dae4"),
      QColor("#eef2f7"), QColor("#d3dae4"), QColor("#f5f7fa"),
      QColor("#1f2937"), QColor("#8a94a3"), QColor("#2f6fdb"), QColor("#e3edfc"),
      QColor("#ffffff"),
      QColor("#3c4656"), QColor("#a3acb9"), QColor("#dfe5ee"), QColor("#cfd7e3"),
      QColor("#e5484d"), QColor("#c7373c"),
      QColor("#ffffff"), QColor("#edf1f6"), QColor("#b4bdca"),
      QColor("#ffffff"), QColor("#e6effc"), QColor("#5b8fe3"),
      QColor("#dfe7f3"), QColor("#d3ddeb"), QColor("#4f7fcf"),
      QColor("#f2f4f7"), QColor("#d8dde4"), QColor("#a0a8b4"),
      QColor("#ffffff"), QColor("#b4bdca"), QColor("#2f6fdb"),
      QColor("#f3f5f8"), QColor("#dde3eb"), QColor("#ffffff"), QColor("#d3dae4"),
      QColor("#f9fafc"), QColor("#edf1f6"),
      QColor("#f1f3f6"), QColor("#e2e6ec"), QColor("#c4cbd6"), QColor("#a9b3c1"),
      QColor("#8e99a9"), QColor("#5d6877"),
      QColor("#ffffff"), QColor("#bcc5d1"), QColor("#e3edfc"), QColor("#e1e6ed"),
      QColor("#ffffff"), QColor("#b4bdca"), QColor("#1f2937"),
      QColor("#ffffff"), QColor("#d3dae4"),
  };
  return p;
}

inline const TSkinPalette& DarkPalette() {
  static const TSkinPalette p{
      "Tellivo Dark",
      QColor("#0c0e12"), QColor("#343a43"), QColor("#2a2f37"), QColor("#1b1e23"),
      QColor("#2a2f37"), QColor("#1b1e23"), QColor("#1f2329"),
      QColor("#e6e9ee"), QColor("#7d8592"), QColor("#4c8df6"), QColor("#2c3a52"),
      QColor("#ffffff"),
      QColor("#d2d8e1"), QColor("#6f7784"), QColor("#3c434d"), QColor("#49515d"),
      QColor("#e5484d"), QColor("#b8353a"),
      QColor("#3a414b"), QColor("#30363f"), QColor("#4d5562"),
      QColor("#424b57"), QColor("#36404c"), QColor("#4c8df6"),
      QColor("#262b33"), QColor("#2c323a"), QColor("#3d74cc"),
      QColor("#2a2e35"), QColor("#353b44"), QColor("#6b7380"),
      QColor("#16191e"), QColor("#454c57"), QColor("#4c8df6"),
      QColor("#23272d"), QColor("#15181c"), QColor("#1a1d22"), QColor("#3a414b"),
      QColor("#2d333b"), QColor("#272c33"),
      QColor("#22262c"), QColor("#1a1d22"), QColor("#4a525e"), QColor("#5c6573"),
      QColor("#707a89"), QColor("#aab2be"),
      QColor("#262a31"), QColor("#0f1115"), QColor("#2c3a52"), QColor("#3a414b"),
      QColor("#2e333b"), QColor("#0f1115"), QColor("#e6e9ee"),
      QColor("#3a414b"), QColor("#15181c"),
  };
  return p;
}
