// The contact file and the frequent-contact file.
#pragma once

#include "contacts/person.h"

// Builds the contact list from the contact file; ends the program with
// "打不开！" when the file cannot be read to its end.
person* load();

// Rewrites the contact file and the frequent-contact file from the list,
// both or neither, and says whether it did: "<保存成功!>" or "打不开！".
bool output(person* first);
