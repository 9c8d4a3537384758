#pragma once
// The kind keywords of SKINOBJECTS and SKINCONTROLS and the classes they make.

#include "skin/bsSkinControls.h"
#include "skin/bsSkinObjects.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A new, unread entry of the kind, or nullptr when the keyword is not a kind.
std::unique_ptr<TbsDataSkinObject> bsCreateSkinObject(std::string_view kind, std::string name);
std::unique_ptr<TbsDataSkinControl> bsCreateSkinControl(std::string_view kind, std::string name);

// Every kind keyword, in table order (used by the writer's tests and tools).
const std::vector<std::string>& bsSkinObjectKinds();
const std::vector<std::string>& bsSkinControlKinds();
