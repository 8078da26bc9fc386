#pragma once

#include <string>

class TDisplaySession;

// The session's counters in the Prometheus text format: per display whether it is connected, the
// rows sent, the failed sends and the connections made; per source the failed refreshes and the
// seconds since its value last changed; and how long the latest collection pass took.
std::string MetricsText(const TDisplaySession& session);
