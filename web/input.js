// The page's own input beside the picture's (web/input.cpp), run as the program starts: the
// key bar of touch screens, whose buttons send their keys down the keyboard's path, and the
// guards that keep a touchpad's pinch from zooming the page (fingers are kept by the CSS's
// touch-action and overscroll-behavior).
var keyBar = document.getElementById('keys');
keyBar.addEventListener('mousedown', function(e) { e.preventDefault(); });  // the focus stays
keyBar.addEventListener('click', function(e) {
  var button = e.target.closest('button');
  if (button) window.dispatchEvent(new KeyboardEvent('keydown', {key: button.dataset.key}));
});
function keepPage(e) { if (e.cancelable) e.preventDefault(); }
document.addEventListener('wheel', function(e) { if (e.ctrlKey) keepPage(e); }, {passive: false});
document.addEventListener('gesturestart', keepPage);  // Safari's pinch
