// libFuzzer target for the skin readers. The first byte picks the entry point:
// a description text, a package, or a compressed (zlib) package.

#include "skin/bsSkinDescription.h"
#include "skin/bsSkinError.h"
#include "skin/bsSkinLimits.h"
#include "skin/bsSkinPackage.h"
#include "skin/bsZlib.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace {

void LoadPackage(std::span<const std::uint8_t> bytes) {
  TbsSkinPackage package = bsReadSkinPackage(bytes);
  if (package.Version > kSkinPackageVersion) return;
  TbsLoadedSkin skin = bsLoadSkinFromPackage(std::move(package));
  // Writing back what was read must never fail.
  bsWriteSkinDescription(skin).ToText();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::span<const std::uint8_t> rest(data + 1, size - 1);
  try {
    switch (data[0] % 3) {
      case 0: {
        TbsLoadedSkin skin;
        bsReadSkinDescription(
            TbsSkinIni::Parse(std::string_view(reinterpret_cast<const char*>(rest.data()), rest.size())),
            skin);
        break;
      }
      case 1:
        LoadPackage(rest);
        break;
      case 2: {
        std::vector<std::uint8_t> inflated;
        bsInflate(rest, inflated, kMaxInflatedSkinBytes);
        LoadPackage(inflated);
        break;
      }
    }
  } catch (const ESkinError&) {
    // A clear error is the expected answer to bad input.
  }
  return 0;
}
