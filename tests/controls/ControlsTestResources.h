#pragma once
// Images only the control tests use, numbered clear of the program's resources.
#define IDB_TEST_PICTURE        9101   // 20 x 16, 256 colours: red card, blue centre, magenta rim
#define IDB_TEST_PICTURE_DEEP   9102   // the same picture in 24 bits per pixel
#define IDB_TEST_TRUNCATED      9103   // a 256-colour header without colours or pixels
#define IDB_TEST_HUGE           9104   // a header claiming 2^31 - 1 pixels a row
