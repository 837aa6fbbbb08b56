// The settings and command files arrive with their own sources.
