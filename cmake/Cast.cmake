# The nine bundled characters: the host tree draws them, the installer ships them.
set(CAST_NAMES Tolvan Mirelle Grumbold Merlin Peedy Genie Robby Yulebard Crookbeak)
