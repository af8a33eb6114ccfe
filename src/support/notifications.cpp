#include "support/notifications.h"

Notifications &Notifications::shared() {
    static Notifications notifications;
    return notifications;
}
