// The contact file and the frequent-contact file.
#pragma once

#include "contacts/person.h"

// Builds the contact list from the contact file; ends the program with
// "打不开！" when the file cannot be read. The argument is not used.
person* load(person* ignored);

// Rewrites the contact file and the frequent-contact file from the list;
// ends the program with "打不开！" when either cannot be written.
void output(person* first);
