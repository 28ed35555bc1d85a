#pragma once
#include <QString>

class QWidget;

// The program's own message boxes, under the program's name.

// A save of the settings failed at `path` for `reason`: true when the player
// wants to try again, false to close without saving.
bool AskToRetrySave(QWidget* parent, const QString& path, const QString& reason);

// The download found no company: most likely the portal did not take the account.
void TellNoCompanyFound(QWidget* parent);

// Not one request of the download reached the portal.
void TellPortalUnreachable(QWidget* parent, const QString& lastError);

// A file the player asked for could not be written to `path`.
void TellNotSaved(QWidget* parent, const QString& path, const QString& reason);

// The price history at `path` could not be read and was moved to `setAside`.
void TellHistorySetAside(QWidget* parent, const QString& path, const QString& setAside);

// The fetcher could not be made ready.
void TellFetcherNotReady(QWidget* parent, const QString& reason);

// The working folder chosen on the command line cannot be used, for `reason`.
void TellFolderUnusable(QWidget* parent, const QString& path, const QString& reason);
