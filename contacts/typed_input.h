// Reading the user's answers. The end of input ends the program at once,
// except where the caller has something to release first.
#pragma once

#include "contacts/person.h"

// An integer; false for a token that is not one, which is consumed.
bool read_number(int& value);

// A search key, cut to fit the field; false when the token was longer than
// a field holds, since such a key can never equal a stored field.
bool read_key(char (&key)[kFieldSize]);

// Name, phone, QQ number and flag of a contact. A flag that is not an
// integer is consumed and taken as 0 (not frequent). False when the input
// ends before all four are read.
bool read_contact(person& fields);
