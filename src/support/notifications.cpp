#include "support/notifications.h"

namespace Vandra {

Notifications &Notifications::shared() {
    static Notifications notifications;
    return notifications;
}

} // namespace Vandra
