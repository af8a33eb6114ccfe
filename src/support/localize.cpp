#include "support/localize.h"

#include <QCoreApplication>
#include <QLocale>

namespace Localize {

// Each text is spelled out in a translate() call of its own so that lupdate finds it.
QString add() {
    return QCoreApplication::translate("Localize", "Add");
}
QString addTheFoldersFromWhereYourJobsAreLinked() {
    return QCoreApplication::translate("Localize",
                                       "Add the folders from where your jobs are linked");
}
QString agent() {
    return QCoreApplication::translate("Localize", "Agent");
}
QString anUnknownErrorOccurred() {
    return QCoreApplication::translate("Localize", "An unknown error occurred");
}
QString anUnknownErrorOccurredWhenFetchingTheLog() {
    return QCoreApplication::translate("Localize",
                                       "An unknown error occurred when fetching the log.");
}
QString application() {
    return QCoreApplication::translate("Localize", "Application");
}
QString atStartupAndWhenSaving() {
    return QCoreApplication::translate("Localize", "At startup and when saving");
}
QString cancel() {
    return QCoreApplication::translate("Localize", "Cancel");
}
QString cannotAuthenticate() {
    return QCoreApplication::translate("Localize", "Cannot authenticate.");
}
QString change() {
    return QCoreApplication::translate("Localize", "Change");
}
QString check() {
    return QCoreApplication::translate("Localize", "Check");
}
QString clearMenu() {
    return QCoreApplication::translate("Localize", "Clear Menu");
}
QString couldNotEstablishCommunicationWithHelperTool() {
    return QCoreApplication::translate("Localize",
                                       "Could not establish communication with the helper tool.");
}
QString day() {
    return QCoreApplication::translate("Localize", "Day");
}
QString dayOfMonth() {
    return QCoreApplication::translate("Localize", "Day of month");
}
QString dayOfWeek() {
    return QCoreApplication::translate("Localize", "Day of week");
}
QString dayOfYear() {
    return QCoreApplication::translate("Localize", "Day of year");
}
QString deleteItem() {
    return QCoreApplication::translate("Localize", "Delete");
}
QString discardChanges() {
    return QCoreApplication::translate("Localize", "Discard Changes");
}
QString done() {
    return QCoreApplication::translate("Localize", "Done");
}
QString editPlist() {
    return QCoreApplication::translate("Localize", "Edit Plist");
}
QString enabled() {
    return QCoreApplication::translate("Localize", "Enabled");
}
QString everyDay() {
    return QCoreApplication::translate("Localize", "Every day");
}
QString everyHour() {
    return QCoreApplication::translate("Localize", "Every hour");
}
QString everyone() {
    return QCoreApplication::translate("Localize", "Everyone");
}
QString filter() {
    return QCoreApplication::translate("Localize", "Filter");
}
QString grid() {
    return QCoreApplication::translate("Localize", "Grid");
}
QString hour() {
    return QCoreApplication::translate("Localize", "Hour");
}
QString info() {
    return QCoreApplication::translate("Localize", "Info");
}
QString kind() {
    return QCoreApplication::translate("Localize", "Kind");
}
QString launchAgainIfItCrashes() {
    return QCoreApplication::translate("Localize", "Launch again if it crashes");
}
QString length() {
    return QCoreApplication::translate("Localize", "Length");
}
QString list() {
    return QCoreApplication::translate("Localize", "List");
}
QString log() {
    return QCoreApplication::translate("Localize", "Log");
}
QString loginItems() {
    return QCoreApplication::translate("Localize", "Login Items");
}
QString mountingLogicalVolume() {
    return QCoreApplication::translate("Localize", "Mounting a logical volume");
}
QString name() {
    return QCoreApplication::translate("Localize", "Name");
}
QString newItem() {
    return QCoreApplication::translate("Localize", "New");
}
QString newScript() {
    return QCoreApplication::translate("Localize", "New Script");
}
QString noError() {
    return QCoreApplication::translate("Localize", "No error");
}
QString noItems() {
    return QCoreApplication::translate("Localize", "No Items");
}
QString notifications() {
    return QCoreApplication::translate("Localize", "Notifications");
}
QString ok() {
    return QCoreApplication::translate("Localize", "OK");
}
QString open() {
    return QCoreApplication::translate("Localize", "Open");
}
QString pleaseTryAgain() {
    return QCoreApplication::translate("Localize", "Please try again.");
}
QString refresh() {
    return QCoreApplication::translate("Localize", "Refresh");
}
QString relaunch() {
    return QCoreApplication::translate("Localize", "Relaunch");
}
QString remove() {
    return QCoreApplication::translate("Localize", "Remove");
}
QString renameTheItemAndTryAgain() {
    return QCoreApplication::translate("Localize", "Rename the item and try again.");
}
QString repeatInterval() {
    return QCoreApplication::translate("Localize", "Repeat interval");
}
QString revealInFinder() {
    return QCoreApplication::translate("Localize", "Show in File Manager");
}
QString run() {
    return QCoreApplication::translate("Localize", "Run");
}
QString scheduled() {
    return QCoreApplication::translate("Localize", "Scheduled");
}
QString share() {
    return QCoreApplication::translate("Localize", "Share");
}
QString summary() {
    return QCoreApplication::translate("Localize", "Summary");
}
QString system() {
    return QCoreApplication::translate("Localize", "System");
}
QString theItemCouldntBeAddedOrRemovedBecauseOfAnUnknownError() {
    return QCoreApplication::translate(
        "Localize", "The item couldn’t be added or removed because of an unknown error.");
}
QString timePeriod() {
    return QCoreApplication::translate("Localize", "Time period");
}
QString timeline() {
    return QCoreApplication::translate("Localize", "Timeline");
}
QString tree() {
    return QCoreApplication::translate("Localize", "Tree");
}
QString unsavedChanges() {
    return QCoreApplication::translate("Localize", "Unsaved Changes");
}
QString weekdays() {
    return QCoreApplication::translate("Localize", "Weekdays");
}
QString weekends() {
    return QCoreApplication::translate("Localize", "Weekends");
}
QString you() {
    return QCoreApplication::translate("Localize", "You");
}
QString youCantUndoThisAction() {
    return QCoreApplication::translate("Localize", "You can’t undo this action.");
}
QString yourChangesWillBeLostIfYouDontSaveThem() {
    return QCoreApplication::translate("Localize",
                                       "Your changes will be lost if you don’t save them.");
}

namespace Lowercase {
QString seconds() {
    return QCoreApplication::translate("Localize", "seconds");
}
QString minutes() {
    return QCoreApplication::translate("Localize", "minutes");
}
QString hours() {
    return QCoreApplication::translate("Localize", "hours");
}
QString days() {
    return QCoreApplication::translate("Localize", "days");
}
// One unit of a period, as the log viewer lists it.
QString minute() {
    return QCoreApplication::translate("Localize", "minute");
}
} // namespace Lowercase

namespace Ellipsis {
QString save() {
    return QCoreApplication::translate("Localize", "Save…");
}
} // namespace Ellipsis

QString text(const char *source) {
    return QCoreApplication::translate("Localize", source);
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
