# The link colour rules on tables, and the hyperlink control on a real dialog
# of this process: its pixels, its mouse and keyboard handling. The tests set
# the browser's colour values of the test prefix's user and remove them again.
jl_add_test(hyperlink_tests SOURCES LinkColourTest.cpp HyperlinkControlTest.cpp LIBS jl_e2e_harness)
