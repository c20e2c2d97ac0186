"""Numbers in the form the project writer stores them, shared by the sample generators.

The program holds intensities, efficiencies, factors and the scale as single-precision floats and
writes them with a fixed number of decimals. A generated file must already carry that text, or the
first save of a sample would change it (a value like 2387.3241 reads into the float that prints as
2387.3242). Going through the float once gives text that reads back to the same float and prints as
itself.
"""
import struct


def single(value):
    """The single-precision float nearest to value, as a Python float."""
    return struct.unpack("<f", struct.pack("<f", value))[0]


def fixed(value, decimals):
    """The text the project writer produces for value after it has been read into a float."""
    text = "%.*f" % (decimals, value)
    return "%.*f" % (decimals, single(float(text)))
