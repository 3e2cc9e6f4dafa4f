#pragma once
// The framework's start-up registration: what it hooks into the core below it.

// Tells the screen data layers of the core how to find a picture: through the image bank.
void RegisterFramework();
