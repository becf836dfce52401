#include "report/engine/run/Dataset.h"

namespace report {

void Dataset::enableControls() {
    if (m_disabledControls > 0) --m_disabledControls;
}

} // namespace report
