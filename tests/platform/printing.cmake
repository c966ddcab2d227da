# Tests of this component are registered here.
