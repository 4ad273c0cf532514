#pragma once

// Registers the program's built-in pictures, strings tables and texts. Call once after the
// application object exists (static libraries do not register their resources on their own).
void initTessalineResources();
