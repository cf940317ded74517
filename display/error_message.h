#pragma once

// Tells the user of a failure the program survives; always false.
bool ShowErrorMessage(const char* text);
