#pragma once

struct SessionUser;

// The five rights a user may hold; each gates its actions when they run.
enum class Right
{
    Administrator,     // users, free SQL, settings, groups, statuses, database list
    MasterDataEditing, // projects, work numbers, types, main numbers
    Insert,            // new document
    Edit,              // edit a document
    Delete,            // delete a document
};

bool hasRight(const SessionUser &user, Right right);
// The session user's right.
bool hasRight(Right right);

// The register is write-protected (setting irasvedett): new and delete actions
// and the OK buttons of the editors are disabled, whatever the user's rights.
bool isWriteProtected();
