// The window definition measures in twips: here they become CSS pixels.

export const TWIPS_PER_PX = 15;
export const px = (twips) => `${twips / TWIPS_PER_PX}px`;

// A line's box, at least a pixel thick.
export function lineBox(line) {
  return {
    name: line.name,
    left: Math.min(line.x1, line.x2),
    top: Math.min(line.y1, line.y2),
    width: Math.max(Math.abs(line.x2 - line.x1), TWIPS_PER_PX),
    height: Math.max(Math.abs(line.y2 - line.y1), TWIPS_PER_PX),
  };
}
