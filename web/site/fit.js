// Scales the window as a whole so that it fits a narrow viewport; 1:1 wherever it fits.
export function fitToViewport(stage, fit, scaled) {
  const update = () => {
    const style = getComputedStyle(stage);
    const room = stage.clientWidth - parseFloat(style.paddingLeft) - parseFloat(style.paddingRight);
    const width = scaled.offsetWidth;
    const height = scaled.offsetHeight;
    const scale = width > 0 ? Math.min(1, room / width) : 1;
    scaled.style.transform = scale < 1 ? `scale(${scale})` : '';
    fit.style.width = `${width * scale}px`;
    fit.style.height = `${height * scale}px`;
  };
  const observer = new ResizeObserver(update);
  observer.observe(stage);
  observer.observe(scaled);
  update();
}
