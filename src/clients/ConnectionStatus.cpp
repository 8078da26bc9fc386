#include "clients/ConnectionStatus.h"

const char* ConnectionStateName(TConnectionState state) {
    switch (state) {
    case TConnectionState::Off:
        return "off";
    case TConnectionState::Connecting:
        return "connecting";
    case TConnectionState::Connected:
        return "connected";
    case TConnectionState::Retrying:
        return "retrying";
    }
    return "off";
}
