#pragma once

#include <QString>
#include <QStringList>

namespace Vandra {

// The program's user-visible texts, translatable, English by default.
//
// Within one run a member always gives the same text: the schedule writer recognises the
// rule editor's rows by comparing with these very functions.
namespace Localize {

QString add();
QString addTheFoldersFromWhereYourJobsAreLinked();
QString agent();
QString anUnknownErrorOccurred();
QString anUnknownErrorOccurredWhenFetchingTheLog();
QString application();
QString atStartupAndWhenSaving();
QString cancel();
QString cannotAuthenticate();
QString change();
QString check();
QString clearMenu();
QString couldNotEstablishCommunicationWithHelperTool();
QString day();
QString dayOfMonth();
QString dayOfWeek();
QString dayOfYear();
QString deleteItem(); // "Delete"; `delete` is reserved in C++
QString discardChanges();
QString done();
QString editPlist();
QString enabled();
QString everyDay();
QString everyHour();
QString everyone();
QString filter();
QString grid();
QString hour();
QString info();
QString kind();
QString launchAgainIfItCrashes();
QString length();
QString list();
QString log();
QString loginItems();
QString mountingLogicalVolume();
QString name();
QString newItem(); // "New"; `new` is reserved in C++
QString newScript();
QString noError();
QString noItems();
QString notifications();
QString ok();
QString open();
QString pleaseTryAgain();
QString refresh();
QString relaunch();
QString remove();
QString renameTheItemAndTryAgain();
QString repeatInterval();
QString revealInFinder();
QString run();
QString scheduled();
QString share();
QString summary();
QString system();
QString theItemCouldntBeAddedOrRemovedBecauseOfAnUnknownError();
QString timePeriod();
QString timeline();
QString tree();
QString unsavedChanges();
QString weekdays();
QString weekends();
QString you();
QString youCantUndoThisAction();
QString yourChangesWillBeLostIfYouDontSaveThem();

namespace Lowercase {
QString seconds();
QString minutes();
QString hours();
QString days();
QString minute();
} // namespace Lowercase

namespace Ellipsis {
QString save();
} // namespace Ellipsis

// A translated text by its English source, for messages that are used once and need no name.
QString text(const char *source);
// Fills each "%@" of a localized format with the next argument, in order.
QString format(const QString &format, const QStringList &arguments);
// An integer as localized text.
QString integer(qint64 value);

} // namespace Localize

} // namespace Vandra
