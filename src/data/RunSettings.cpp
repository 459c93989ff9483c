#include "data/RunSettings.h"

namespace brekka {

double CriticalValueForConfidence(int percent) {
    switch (percent) {
    case 95:
        return 2.1;
    case 98:
        return 2.5;
    default:
        return 1.75;
    }
}

int ConfidenceForCriticalValue(double criticalValue) {
    if (criticalValue < 1.8) {
        return 90;
    }
    return criticalValue < 2.2 ? 95 : 98;
}

} // namespace brekka
