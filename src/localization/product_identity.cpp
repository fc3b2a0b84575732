#include "localization/product_identity.h"

namespace tallowmere {

bool ProductIdentity::isChineseReading(InterfaceLanguage language) {
    switch (language) {
    case InterfaceLanguage::simplifiedChinese:
    case InterfaceLanguage::traditionalChineseTaiwan:
    case InterfaceLanguage::traditionalChineseHongKong:
    case InterfaceLanguage::shandongChicken:
    case InterfaceLanguage::shandongFish:
    case InterfaceLanguage::cantonese: return true;
    default: return false;
    }
}

bool ProductIdentity::usesChineseDisplayName() { return isChineseReading(InterfaceLanguage::current()); }

std::string_view ProductIdentity::localizedName() { return usesChineseDisplayName() ? displayName : externalName; }

std::string ProductIdentity::localizedBrand(std::string_view chinese, std::string_view foreign) {
    return std::string(usesChineseDisplayName() ? chinese : foreign);
}

}  // namespace tallowmere
