// The contact file and the frequent-contact file.
#pragma once

#include "contacts/person.h"

// Builds the contact list from the contact file; ends the program with
// "打不开！" when the file cannot be read to its end.
person* load();

// Rewrites the frequent-contact file, then the contact file, from the list,
// and says whether it did: "<保存成功!>"; "打不开！" with the contact file as
// it was; or, when the new contact file is in place but the folder's sync
// failed, that it may not have reached the disk.
bool output(person* first);
