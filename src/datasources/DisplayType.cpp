#include "datasources/DisplayType.h"

std::string DisplayTypeName(TDisplayType type) {
    switch (type) {
    case DisplayType_Debug:
        return "DisplayType_Debug";
    case DisplayType_Vorlix2Com:
        return "DisplayType_Vorlix2Com";
    case DisplayType_Vorlix2Ip:
        return "DisplayType_Vorlix2Ip";
    case DisplayType_Vorlix3Com:
        return "DisplayType_Vorlix3Com";
    case DisplayType_Vorlix3Ip:
        return "DisplayType_Vorlix3Ip";
    }
    return std::to_string(static_cast<int>(type));
}
