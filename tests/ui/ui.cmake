# Tests of this part are registered here.
