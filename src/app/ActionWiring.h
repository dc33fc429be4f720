#pragma once

class MainWindow;

// The main window's actions are connected to their subsystems in one file per
// subsystem, so the work on one subsystem never edits another's wiring. Each
// connects its handlers through MainWindow::actionCatalogue().connectHandler().
void connectDocumentActions(MainWindow &window);   // new, edit, delete a document (DocumentActions.cpp)
void connectAttachmentActions(MainWindow &window); // attach, open, journal viewer, online store (AttachmentActions.cpp)
void connectMarkingActions(MainWindow &window);  // print and status marking, lending, reminders (MarkingActions.cpp)
void connectOutputActions(MainWindow &window);   // exports, clipboard, printed output (OutputActions.cpp)
void connectAdminActions(MainWindow &window);    // free SQL, database list (AdminActions.cpp)
void connectReportActions(MainWindow &window);   // printed lists, envelopes, barcodes (ReportActions.cpp)
