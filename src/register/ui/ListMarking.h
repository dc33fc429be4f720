#pragma once

class DocumentListModel;
class DocumentListView;

// The print mark of the list's current document is toggled on the server and
// in the list's own row, then the cursor steps to the next row (it stays on
// the last). The list is not re-read, so a held-down key walks a long list.
// False on an empty list.
bool ToggleMarkInList(DocumentListModel &model, DocumentListView &view);

// The client-side view of marked rows; it stays in force across every
// re-opening of the list until switched off. Keeps the current document when
// the view still shows it.
void ShowMarkedOnly(DocumentListModel &model, DocumentListView &view, bool on);
