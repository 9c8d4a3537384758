#include "app/OnlineConstants.h"

#include <gtest/gtest.h>

#include <string>

namespace rasp {
namespace {

// A distributor changes MakerHost alone; every address on the maker's server
// must follow it.
TEST(OnlineConstants, EveryMakerAddressIsBuiltOnMakerHost)
{
    const std::string origin = std::string("http://") + MakerHost + "/";
    EXPECT_EQ(std::string(MakerHost), "www.tellivo-rasp.example");
    EXPECT_EQ(std::string(UpdateBaseURL), origin + "liveupdate/tellivo_rasp/");
    EXPECT_EQ(std::string(HelpPageURL), origin + "rasphelp");
    EXPECT_EQ(std::string(PromotionBaseURL), origin + "partners/");
}

} // namespace
} // namespace rasp
