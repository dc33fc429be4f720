#pragma once

#include <QString>
#include <optional>

// The vendor's version notices and news: asked of the vendor's web service
// (vendorBaseUrl()) a little after start-up, each answer saved into the data
// folder first. Each register remembers in beallit the last notice that a user
// chose not to see again. A check that fails for any reason (no network, a
// refused download, an unreadable or malformed answer, the register unreachable)
// simply finds nothing: nothing is shown and nothing is stored.
namespace VendorNotices {

// The program's identifier at the vendor (query key "prg").
inline constexpr int ProgramId = 36;

struct VersionNotice
{
    QString version; // the version the vendor offers
    QString text;    // its notice
};

struct NewsItem
{
    int id = 0;
    QString idText; // as the vendor sent it
    QString title;
    QString text;
    QString detailsAddress; // the vendor's page of the item
};

// The build number of a version: its fourth '.'-field as a number (0 when none).
int buildNumber(const QString &version);

// The notice to show for an answer "version|text", given the version dismissed for
// good (empty: none) and the program's own: only a build number above both.
std::optional<VersionNotice> versionNoticeOf(const QString &answer, const QString &accepted,
                                             const QString &programVersion);
// The news item of an answer "id|title|text"; none when the id is empty or "0".
std::optional<NewsItem> newsItemOf(const QString &answer);

QString versionAddress();
QString newsAddress(int acceptedNews);
QString newsDetailsAddress(const QString &idText);

// Deletes the data folder's file, downloads the address into it and reads it back
// through RepairUtf8. Empty optional on any failure.
std::optional<QString> downloadAnswer(const QString &address, const QString &fileName);

// The whole checks on the current connection; never throw.
std::optional<VersionNotice> checkVersion();
std::optional<NewsItem> checkNews();

// "Többet ne figyelmeztessen" / "Többet ne mutassa": remembers the dismissal in beallit.
// The news dismissal only ever raises the remembered number.
void acceptVersion(const QString &version);
void acceptNews(int id);

} // namespace VendorNotices
