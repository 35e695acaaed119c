// The help entry's command ("open ./help.html ...") shows the help page inside this one, in
// a WAI-ARIA dialog: no tab, no window, so no popup blocker or sandboxed frame can stop it.
// The help page travels in the page in every language, each in a <template id="help-LANG">
// (web/shell.html); the page's language's is shown in a shadow root, where its own styles
// stay; its contents links scroll within it. The focus goes in, stays in, and returns to the
// picture when Escape or the close button closes it.
var LibraryHelp = {
  $HELP: {
    // The dialog's text, made from the template when it first opens, and its listeners; the
    // page's body rule becomes the host's.
    make: function(dialog) {
      var root = HELP.root = dialog.querySelector('.text > div').attachShadow({mode: 'open'});
      var page = document.getElementById('help-' + document.documentElement.lang) || document.getElementById('help-fr');
      root.appendChild(page.content.cloneNode(true));
      root.querySelectorAll('style').forEach(function(style) {
        style.textContent = style.textContent.replace(/\bbody\b/g, ':host');
      });
      root.addEventListener('click', function(e) {
        var link = e.target.closest('a[href^="#"]'), target = link && root.getElementById(link.hash.slice(1));
        if (!target) return;
        e.preventDefault();
        target.tabIndex = -1;
        target.scrollIntoView();
        target.focus();
      });
      dialog.addEventListener('keydown', HELP.key);
      dialog.querySelector('.close').addEventListener('click', HELP.close);
    },
    close: function() {
      var dialog = document.getElementById('help');
      dialog.close ? dialog.close() : dialog.removeAttribute('open');
      document.getElementById('canvas').focus();
    },
    // Tab and Shift+Tab go round the dialog's own links and button; no key leaves it.
    key: function(e) {
      var dialog = e.currentTarget;
      e.stopPropagation();
      if (e.key == 'Escape') {
        e.preventDefault();
        return HELP.close();
      }
      if (e.key != 'Tab') return;
      var stops = [dialog.querySelector('.close')].concat(Array.from(HELP.root.querySelectorAll('a[href]')));
      var at = stops.indexOf(HELP.root.activeElement || document.activeElement);
      e.preventDefault();
      stops[(at + (e.shiftKey ? stops.length - 1 : 1)) % stops.length].focus();
    },
  },

  // The help entry's command: the dialog opens, its close button focused.
  system: function(command) {
    var dialog = document.getElementById('help');
    if (dialog.open) return 0;
    if (!HELP.root) HELP.make(dialog);
    dialog.showModal ? dialog.showModal() : dialog.setAttribute('open', '');
    dialog.querySelector('.close').focus();
    return 0;
  },
};

autoAddDeps(LibraryHelp, '$HELP');
mergeInto(LibraryManager.library, LibraryHelp);
