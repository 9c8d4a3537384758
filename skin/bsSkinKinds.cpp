#include "skin/bsSkinKinds.h"

namespace {

template <class Base>
using TMaker = std::unique_ptr<Base> (*)(std::string);

template <class Base, class T>
std::unique_ptr<Base> Make(std::string name) {
  return std::make_unique<T>(std::move(name));
}

struct TObjectKind {
  const char* Kind;
  TMaker<TbsDataSkinObject> Maker;
};

struct TControlKind {
  const char* Kind;
  TMaker<TbsDataSkinControl> Maker;
};

const TObjectKind kObjectKinds[] = {
    {"menuitem", &Make<TbsDataSkinObject, TbsDataSkinMenuItem>},
    {"mainmenubaritem", &Make<TbsDataSkinObject, TbsDataSkinMainMenuBarItem>},
    {"stdbutton", &Make<TbsDataSkinObject, TbsDataSkinStdButton>},
    {"mainmenubarbutton", &Make<TbsDataSkinObject, TbsDataSkinMainMenuBarButton>},
    {"button", &Make<TbsDataSkinObject, TbsDataSkinButton>},
    {"caption", &Make<TbsDataSkinObject, TbsDataSkinCaption>},
    {"animate", &Make<TbsDataSkinObject, TbsDataSkinAnimate>},
    {"userobject", &Make<TbsDataSkinObject, TbsDataUserObject>},
};

const TControlKind kControlKinds[] = {
    {"panel", &Make<TbsDataSkinControl, TbsDataSkinPanelControl>},
    {"expanel", &Make<TbsDataSkinControl, TbsDataSkinExPanelControl>},
    {"menubutton", &Make<TbsDataSkinControl, TbsDataSkinMenuButtonControl>},
    {"button", &Make<TbsDataSkinControl, TbsDataSkinButtonControl>},
    {"checkradio", &Make<TbsDataSkinControl, TbsDataSkinCheckRadioControl>},
    {"gauge", &Make<TbsDataSkinControl, TbsDataSkinGaugeControl>},
    {"splitter", &Make<TbsDataSkinControl, TbsDataSkinSplitterControl>},
    {"trackbar", &Make<TbsDataSkinControl, TbsDataSkinTrackBarControl>},
    {"label", &Make<TbsDataSkinControl, TbsDataSkinLabelControl>},
    {"stdlabel", &Make<TbsDataSkinControl, TbsDataSkinStdLabelControl>},
    {"updown", &Make<TbsDataSkinControl, TbsDataSkinUpDownControl>},
    {"grid", &Make<TbsDataSkinControl, TbsDataSkinGridControl>},
    {"tab", &Make<TbsDataSkinControl, TbsDataSkinTabControl>},
    {"mainmenubar", &Make<TbsDataSkinControl, TbsDataSkinMainMenuBar>},
    {"controlbar", &Make<TbsDataSkinControl, TbsDataSkinControlBar>},
    {"memo", &Make<TbsDataSkinControl, TbsDataSkinMemoControl>},
    {"edit", &Make<TbsDataSkinControl, TbsDataSkinEditControl>},
    {"checklistbox", &Make<TbsDataSkinControl, TbsDataSkinCheckListBox>},
    {"listbox", &Make<TbsDataSkinControl, TbsDataSkinListBox>},
    {"combobox", &Make<TbsDataSkinControl, TbsDataSkinComboBox>},
    {"scrollbar", &Make<TbsDataSkinControl, TbsDataSkinScrollBarControl>},
    {"spinedit", &Make<TbsDataSkinControl, TbsDataSkinSpinEditControl>},
    {"scrollbox", &Make<TbsDataSkinControl, TbsDataSkinScrollBoxControl>},
    {"treeview", &Make<TbsDataSkinControl, TbsDataSkinTreeView>},
    {"bevel", &Make<TbsDataSkinControl, TbsDataSkinBevel>},
    {"slider", &Make<TbsDataSkinControl, TbsDataSkinSlider>},
    {"listview", &Make<TbsDataSkinControl, TbsDataSkinListView>},
    {"richedit", &Make<TbsDataSkinControl, TbsDataSkinRichEdit>},
};

}  // namespace

std::unique_ptr<TbsDataSkinObject> bsCreateSkinObject(std::string_view kind, std::string name) {
  for (const auto& k : kObjectKinds) {
    if (kind == k.Kind) return k.Maker(std::move(name));
  }
  return nullptr;
}

std::unique_ptr<TbsDataSkinControl> bsCreateSkinControl(std::string_view kind, std::string name) {
  for (const auto& k : kControlKinds) {
    if (kind == k.Kind) return k.Maker(std::move(name));
  }
  return nullptr;
}

const std::vector<std::string>& bsSkinObjectKinds() {
  static const std::vector<std::string> kinds = [] {
    std::vector<std::string> v;
    for (const auto& k : kObjectKinds) v.emplace_back(k.Kind);
    return v;
  }();
  return kinds;
}

const std::vector<std::string>& bsSkinControlKinds() {
  static const std::vector<std::string> kinds = [] {
    std::vector<std::string> v;
    for (const auto& k : kControlKinds) v.emplace_back(k.Kind);
    return v;
  }();
  return kinds;
}
