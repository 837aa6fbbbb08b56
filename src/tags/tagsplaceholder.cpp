// The tag access arrives with its own sources.
