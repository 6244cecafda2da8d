// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>

#include <vector>

// How closely rendered text follows a drawing, compared pixel by pixel.
//
// Recall: the share of line pixels with ink within `reach` pixels (Euclidean). Precision: the
// share of ink pixels with a line pixel within `reach` pixels. F: their harmonic mean. The oriented
// variants count a pair of ink and line pixel only when the ink's stroke runs within 30 degrees
// of the line; ink without a clear direction (a dot, a corner) pairs with any line. All in
// percent; an empty side scores 100 when the other is empty too, 0 otherwise.
struct QualityScores {
    double recall = 0;
    double precision = 0;
    double f = 0;
    double orientedRecall = 0;
    double orientedPrecision = 0;
    double orientedF = 0;
    int linePixels = 0;
    int inkPixels = 0;
};

// The drawn lines as pixels: a mask (Format_Grayscale8, 255 = line) and, per line pixel, the
// directions in radians (0 to pi) of the segments drawn through it.
struct LinePixels {
    QImage mask;
    std::vector<std::vector<float>> directions;  // by y * width + x
};

// `ink`: Format_Grayscale8 of the same size, 255 = ink.
// `reach` 2 is the usual measure; 1 shows whether characters sit on the line or a pixel or two off.
QualityScores measureQuality(const LinePixels& lines, const QImage& ink, int reach = 2);

double harmonicMean(double a, double b);
