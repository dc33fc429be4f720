#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>

class Dataset;
class QAction;
class QActionGroup;
class QMainWindow;
class QMenu;
class QToolBar;
class QToolButton;
struct ProgramSettings;

// Every command of the main window as a QAction with its object name, caption,
// hint, shortcut and icon, and the menus, toolbars and pop-up menus that hold
// them. Running an action first records "frm_Main." + its name as LastAction;
// a failure escaping a handler connected here goes to the unhandled-error
// handler and the window stays usable.
class ActionCatalogue : public QObject
{
    Q_OBJECT
public:
    explicit ActionCatalogue(QMainWindow *window);

    // The action of that object name. A name the catalogue does not hold is a
    // programming error: it throws std::logic_error naming it.
    QAction *action(const QString &name) const;
    // The same for names that may be missing (status codes read from the register): nullptr then.
    QAction *find(const QString &name) const { return m_byName.value(name); }
    const QList<QAction *> &actions() const { return m_actions; }

    // Runs the handler when the action is triggered.
    void connectHandler(const QString &name, std::function<void()> handler);

    // The one-marked-at-a-time group of aSzur0 .. aSzur12.
    QActionGroup *filterGroup() const { return m_filterGroup; }

    QToolBar *smallToolBar() const { return m_smallToolBar; }
    QToolBar *largeToolBar() const { return m_largeToolBar; }
    QMenu *listPopup() const { return m_listPopup; }
    QMenu *filePopup() const { return m_filePopup; }
    // The drop-downs of the large toolbar's buttons.
    QMenu *filterDropDown() const { return m_filterDropDown; }
    QMenu *markDropDown() const { return m_markDropDown; }
    QMenu *printDropDown() const { return m_printDropDown; }
    QMenu *statusDropDown() const { return m_statusDropDown; }

    // Captions that the register's settings give (aProjekt, aMunkaszam, aTipus).
    void applySettings(const ProgramSettings &settings);
    // The status actions of the register's statuses (rows of statusz): caption
    // name + " (" + code + ")", shown and enabled; other codes are skipped.
    void loadStatuses(const Dataset &statuses);
    // A write-protected register: new, delete, reminder and status actions off.
    void disableForWriteProtection();

private:
    QAction *make(const QString &name, const QString &caption, const QString &shortcut = QString(),
                  const QString &hint = QString());
    void buildMenus(QMainWindow *window);
    void buildToolBars(QMainWindow *window);
    QToolButton *dropDownButton(const QString &name, const QString &caption, const QString &hint,
                                QMenu *menu);
    QMenu *menuOf(QWidget *parent, const QString &name, const QString &title,
                  const QList<QAction *> &actions);
    QList<QAction *> named(const QStringList &names) const;

    QWidget *m_window;
    QList<QAction *> m_actions;
    QHash<QString, QAction *> m_byName;
    QActionGroup *m_filterGroup = nullptr;
    QToolBar *m_smallToolBar = nullptr;
    QToolBar *m_largeToolBar = nullptr;
    QMenu *m_listPopup = nullptr;
    QMenu *m_filePopup = nullptr;
    QMenu *m_filterDropDown = nullptr;
    QMenu *m_markDropDown = nullptr;
    QMenu *m_printDropDown = nullptr;
    QMenu *m_statusDropDown = nullptr;
};
