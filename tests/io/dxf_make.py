# Writes DXF drawings with ezdxf for the reader's tests: lines, arcs, circles and old-style polylines.
import sys

import ezdxf


def main():
    path, version = sys.argv[1], sys.argv[2]
    doc = ezdxf.new(version)
    msp = doc.modelspace()
    msp.add_line((1000, 2000), (5000, 2000), dxfattribs={"layer": "WALL"})
    msp.add_line((5000, 2000), (5000, 6000))
    msp.add_arc((3000, 4000), 500, 0, 90)
    msp.add_circle((2000, 3000), 250)
    msp.add_polyline2d([(1500, 2500), (2500, 2500), (2500, 3500), (1500, 3500)], close=True)
    msp.add_polyline2d([(4000, 4000), (4500, 4200), (4800, 4900)])
    doc.saveas(path)


if __name__ == "__main__":
    main()
