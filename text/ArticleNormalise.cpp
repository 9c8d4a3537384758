#include "text/ArticleNormalise.h"

namespace rasp {

bool NormaliseArticleText(std::u16string& text) {
    bool changed = false;
    for (char16_t& c : text) {
        switch (c) {
            case u'\u00A0': c = u' '; changed = true; break;
            case u'\u2019': c = u'\''; changed = true; break;
            case u'\u2013': c = u'-'; changed = true; break;
            default: break;
        }
    }
    return changed;
}

}  // namespace rasp
