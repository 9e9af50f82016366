// Carries the precompiled headers that the tests reuse; it has no code of its own.
