// A library that is nothing but its version resource.
