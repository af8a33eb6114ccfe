#include "support/localize.h"

#include <QCoreApplication>
#include <QLocale>

namespace Vandra {

namespace Localize {

// Each text is spelled out in a translate() call of its own so that lupdate finds it.
QString add() {
    return QCoreApplication::translate("Vandra::Localize", "Add");
}
QString addTheFoldersFromWhereYourJobsAreLinked() {
    return QCoreApplication::translate("Vandra::Localize",
                                       "Add the folders from where your jobs are linked");
}
QString agent() {
    return QCoreApplication::translate("Vandra::Localize", "Agent");
}
QString anUnknownErrorOccurred() {
    return QCoreApplication::translate("Vandra::Localize", "An unknown error occurred");
}
QString anUnknownErrorOccurredWhenFetchingTheLog() {
    return QCoreApplication::translate("Vandra::Localize",
                                       "An unknown error occurred when fetching the log.");
}
QString application() {
    return QCoreApplication::translate("Vandra::Localize", "Application");
}
QString atStartupAndWhenSaving() {
    return QCoreApplication::translate("Vandra::Localize", "At startup and when saving");
}
QString cancel() {
    return QCoreApplication::translate("Vandra::Localize", "Cancel");
}
QString cannotAuthenticate() {
    return QCoreApplication::translate("Vandra::Localize", "Cannot authenticate.");
}
QString change() {
    return QCoreApplication::translate("Vandra::Localize", "Change");
}
QString check() {
    return QCoreApplication::translate("Vandra::Localize", "Check");
}
QString clearMenu() {
    return QCoreApplication::translate("Vandra::Localize", "Clear Menu");
}
QString couldNotEstablishCommunicationWithHelperTool() {
    return QCoreApplication::translate("Vandra::Localize",
                                       "Could not establish communication with the helper tool.");
}
QString day() {
    return QCoreApplication::translate("Vandra::Localize", "Day");
}
QString dayOfMonth() {
    return QCoreApplication::translate("Vandra::Localize", "Day of month");
}
QString dayOfWeek() {
    return QCoreApplication::translate("Vandra::Localize", "Day of week");
}
QString dayOfYear() {
    return QCoreApplication::translate("Vandra::Localize", "Day of year");
}
QString deleteItem() {
    return QCoreApplication::translate("Vandra::Localize", "Delete");
}
QString discardChanges() {
    return QCoreApplication::translate("Vandra::Localize", "Discard Changes");
}
QString done() {
    return QCoreApplication::translate("Vandra::Localize", "Done");
}
QString editPlist() {
    return QCoreApplication::translate("Vandra::Localize", "Edit Plist");
}
QString enabled() {
    return QCoreApplication::translate("Vandra::Localize", "Enabled");
}
QString everyDay() {
    return QCoreApplication::translate("Vandra::Localize", "Every day");
}
QString everyHour() {
    return QCoreApplication::translate("Vandra::Localize", "Every hour");
}
QString everyone() {
    return QCoreApplication::translate("Vandra::Localize", "Everyone");
}
QString filter() {
    return QCoreApplication::translate("Vandra::Localize", "Filter");
}
QString grid() {
    return QCoreApplication::translate("Vandra::Localize", "Grid");
}
QString hour() {
    return QCoreApplication::translate("Vandra::Localize", "Hour");
}
QString info() {
    return QCoreApplication::translate("Vandra::Localize", "Info");
}
QString kind() {
    return QCoreApplication::translate("Vandra::Localize", "Kind");
}
QString launchAgainIfItCrashes() {
    return QCoreApplication::translate("Vandra::Localize", "Launch again if it crashes");
}
QString length() {
    return QCoreApplication::translate("Vandra::Localize", "Length");
}
QString list() {
    return QCoreApplication::translate("Vandra::Localize", "List");
}
QString log() {
    return QCoreApplication::translate("Vandra::Localize", "Log");
}
QString loginItems() {
    return QCoreApplication::translate("Vandra::Localize", "Login Items");
}
QString mountingLogicalVolume() {
    return QCoreApplication::translate("Vandra::Localize", "Mounting a logical volume");
}
QString name() {
    return QCoreApplication::translate("Vandra::Localize", "Name");
}
QString newItem() {
    return QCoreApplication::translate("Vandra::Localize", "New");
}
QString newScript() {
    return QCoreApplication::translate("Vandra::Localize", "New Script");
}
QString noError() {
    return QCoreApplication::translate("Vandra::Localize", "No error");
}
QString noItems() {
    return QCoreApplication::translate("Vandra::Localize", "No Items");
}
QString notifications() {
    return QCoreApplication::translate("Vandra::Localize", "Notifications");
}
QString ok() {
    return QCoreApplication::translate("Vandra::Localize", "OK");
}
QString open() {
    return QCoreApplication::translate("Vandra::Localize", "Open");
}
QString pleaseTryAgain() {
    return QCoreApplication::translate("Vandra::Localize", "Please try again.");
}
QString refresh() {
    return QCoreApplication::translate("Vandra::Localize", "Refresh");
}
QString relaunch() {
    return QCoreApplication::translate("Vandra::Localize", "Relaunch");
}
QString remove() {
    return QCoreApplication::translate("Vandra::Localize", "Remove");
}
QString renameTheItemAndTryAgain() {
    return QCoreApplication::translate("Vandra::Localize", "Rename the item and try again.");
}
QString repeatInterval() {
    return QCoreApplication::translate("Vandra::Localize", "Repeat interval");
}
QString revealInFinder() {
    return QCoreApplication::translate("Vandra::Localize", "Show in File Manager");
}
QString run() {
    return QCoreApplication::translate("Vandra::Localize", "Run");
}
QString scheduled() {
    return QCoreApplication::translate("Vandra::Localize", "Scheduled");
}
QString share() {
    return QCoreApplication::translate("Vandra::Localize", "Share");
}
QString summary() {
    return QCoreApplication::translate("Vandra::Localize", "Summary");
}
QString system() {
    return QCoreApplication::translate("Vandra::Localize", "System");
}
QString theItemCouldntBeAddedOrRemovedBecauseOfAnUnknownError() {
    return QCoreApplication::translate(
        "Vandra::Localize", "The item couldn’t be added or removed because of an unknown error.");
}
QString timePeriod() {
    return QCoreApplication::translate("Vandra::Localize", "Time period");
}
QString timeline() {
    return QCoreApplication::translate("Vandra::Localize", "Timeline");
}
QString tree() {
    return QCoreApplication::translate("Vandra::Localize", "Tree");
}
QString unsavedChanges() {
    return QCoreApplication::translate("Vandra::Localize", "Unsaved Changes");
}
QString weekdays() {
    return QCoreApplication::translate("Vandra::Localize", "Weekdays");
}
QString weekends() {
    return QCoreApplication::translate("Vandra::Localize", "Weekends");
}
QString you() {
    return QCoreApplication::translate("Vandra::Localize", "You");
}
QString youCantUndoThisAction() {
    return QCoreApplication::translate("Vandra::Localize", "You can’t undo this action.");
}
QString yourChangesWillBeLostIfYouDontSaveThem() {
    return QCoreApplication::translate("Vandra::Localize",
                                       "Your changes will be lost if you don’t save them.");
}

namespace Lowercase {
QString seconds() {
    return QCoreApplication::translate("Vandra::Localize", "seconds");
}
QString minutes() {
    return QCoreApplication::translate("Vandra::Localize", "minutes");
}
QString hours() {
    return QCoreApplication::translate("Vandra::Localize", "hours");
}
QString days() {
    return QCoreApplication::translate("Vandra::Localize", "days");
}
// One unit of a period, as the log viewer lists it.
QString minute() {
    return QCoreApplication::translate("Vandra::Localize", "minute");
}
} // namespace Lowercase

namespace Ellipsis {
QString save() {
    return QCoreApplication::translate("Vandra::Localize", "Save…");
}
} // namespace Ellipsis

QString text(const char *source) {
    return QCoreApplication::translate("Vandra::Localize", source);
}

QString format(const QString &format, const QStringList &arguments) {
    static const QLatin1StringView placeholder("%@");
    QString result;
    result.reserve(format.size());
    qsizetype next = 0;
    qsizetype from = 0;
    // Scan the format only: an argument that holds "%@" itself stays as it is.
    for (qsizetype at = format.indexOf(placeholder); at >= 0;
         at = format.indexOf(placeholder, from)) {
        result += QStringView(format).mid(from, at - from);
        if (next < arguments.size())
            result += arguments.at(next++);
        from = at + placeholder.size();
    }
    result += QStringView(format).mid(from);
    return result;
}

QString integer(qint64 value) {
    // Without group separators, so that a number shown in a text field reads back as typed.
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale.toString(value);
}

} // namespace Localize

} // namespace Vandra
