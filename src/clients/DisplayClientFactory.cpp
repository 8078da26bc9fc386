#include "clients/DisplayClient.h"

#include "clients/DisplayClientDebug.h"
#include "clients/DisplayClientVorlix3COM.h"
#include "clients/DisplayClientVorlixTCPIP.h"
#include "datasources/DisplayBase.h"

std::unique_ptr<TDisplayClientBase> TDisplayClientBase::CreateClient(const TDisplayBase& displaybase,
                                                                     bool runningFromStart) {
    switch (displaybase.DisplayType) {
    case DisplayType_Debug:
        return std::make_unique<TDisplayClientDebug>(displaybase);
    case DisplayType_Vorlix3Com:
        return std::make_unique<TDisplayClientVorlix3COM>(displaybase, runningFromStart);
    case DisplayType_Vorlix3Ip:
        return std::make_unique<TDisplayClientVorlixTCPIP>(displaybase, runningFromStart);
    default:
        return nullptr;
    }
}
