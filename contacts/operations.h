// What the menu offers on the contact list: adding, browsing, searching,
// revising and deleting contacts.
#pragma once

#include "contacts/person.h"

// An integer the user typed; false for a token that is no integer, which is
// consumed. The end of input ends the program.
bool read_answer(int& value);

// Asks for a new contact and inserts it by name; returns the first record.
person* add(person* first);

// Lists every contact as a table.
void skim(person* first);

// Each finder scans from `start` for the next contact whose field equals
// `key` (or, for seekfamiliar, who is a frequent contact), prints its row
// and returns it; null when there is none.
person* seekname(person* start, const char* key);
person* seekphone(person* start, const char* key);
person* seekqq(person* start, const char* key);
person* seekfamiliar(person* start);

// Lists every contact matching a name, phone or QQ number, or every
// frequent contact.
void search(person* first);

// Replaces all fields of one confirmed contact, which keeps its place.
void revise(person* first);

// Removes one confirmed contact; returns the first record.
person* del(person* first);
