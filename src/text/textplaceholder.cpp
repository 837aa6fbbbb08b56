// The text engines arrive with their own sources.
