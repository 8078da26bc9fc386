#pragma once

#include <functional>
#include <string>

class TConfigurationRow;
class TSimDisplay;

// Replaces the references of a configuration string as a display's connection would.
using TResolveReferences = std::function<std::string(const std::string& configString)>;

// The configuration string the send cycle sends for `row` to a display `width` LEDs wide that
// shows nothing else, its references replaced by `resolve` (left as they are without it).
std::string RowAloneString(const TConfigurationRow& row, int width, const TResolveReferences& resolve);

// Clears `display` and carries out `configString` on it, from RowAloneString: what the operator
// sees of the row once it goes out.
void ShowRowAlone(TSimDisplay& display, const std::string& configString);

// Whether the row's text, alone on a display `width` LEDs wide, is cut off at its area's edge.
bool RowTextCutOff(const TConfigurationRow& row, int width, const TResolveReferences& resolve);
