"""OpenCV's 3 x 3 filter2D and its LUT on the picture effects_bench wrote:
the peers the convolution and the lookup-table effects are measured against
(Debian's python3-opencv, installed by hand for benchmarking)."""

import sys
import time

import cv2
import numpy as np

picture = cv2.imread(sys.argv[1], cv2.IMREAD_COLOR)
kernel = np.array([[-1, -1, -1], [-1, 12, -1], [-1, -1, -1]], np.float32) / 4
table = np.array([min(255, v + ((255 - v) * 60 >> 8)) for v in range(256)], np.uint8)


def fastest(run, repeats=10):
    best = float("inf")
    for _ in range(repeats):
        start = time.perf_counter()
        run()
        best = min(best, time.perf_counter() - start)
    return best * 1000


copy = np.empty_like(picture)
for threads in (1, 0):
    cv2.setNumThreads(threads if threads else cv2.getNumberOfCPUs())
    label = "1 thread" if threads == 1 else "all threads"
    print(f"OpenCV {cv2.__version__} filter2D 3x3 ({label}): "
          f"{fastest(lambda: cv2.filter2D(picture, -1, kernel, borderType=cv2.BORDER_REPLICATE)):.1f} ms")
    print(f"OpenCV LUT ({label}): {fastest(lambda: cv2.LUT(picture, table)):.1f} ms")
print(f"numpy copy: {fastest(lambda: np.copyto(copy, picture)):.1f} ms")
