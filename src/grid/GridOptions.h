// The grid's option sets and small enumerations. The option sets are bit
// sets: bit n of the stored value is member n, so stored configurations map
// one to one onto these values.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace grid {

template <typename E> class TOptionSet {
public:
    constexpr TOptionSet() = default;
    constexpr TOptionSet(std::initializer_list<E> members) {
        for (E m : members)
            bits_ |= Bit(m);
    }
    static constexpr TOptionSet FromBits(std::uint32_t bits) {
        TOptionSet s;
        s.bits_ = bits;
        return s;
    }
    constexpr std::uint32_t Bits() const { return bits_; }
    constexpr bool Has(E m) const { return (bits_ & Bit(m)) != 0; }
    constexpr TOptionSet& Include(E m) {
        bits_ |= Bit(m);
        return *this;
    }
    constexpr TOptionSet& Exclude(E m) {
        bits_ &= ~Bit(m);
        return *this;
    }
    constexpr bool operator==(const TOptionSet&) const = default;

private:
    static constexpr std::uint32_t Bit(E m) { return 1u << static_cast<unsigned>(m); }
    std::uint32_t bits_ = 0;
};

enum class TGridOption : unsigned {
    dgEditing,
    dgAlwaysShowEditor,
    dgTitles,
    dgIndicator,
    dgColumnResize,
    dgColLines,
    dgRowLines,
    dgTabs,
    dgRowSelect,
    dgAlwaysShowSelection,
    dgConfirmDelete,
    dgCancelOnExit,
    dgMultiSelect,
};
using TGridOptions = TOptionSet<TGridOption>;

enum class TGridOptionExt : unsigned {
    dgxFixed3D,
    dgxFrozen3D,
    dgxFooter3D,
    dgxData3D,
    dgxResizeWholeRightPart,
    dgxHighlightFocus,
    dgxClearSelection,
    dgxFitRowHeightToText,
    dgxAutoSortMarking,
    dgxMultiSortMarking,
    dgxEnterAsTab,
    dgxTraceColSizing,
    dgxIncSearch,
    dgxPreferIncSearch,
    dgxRowHighlight,
    dgxDblClickOptimizeColWidth,
    dgxDialogFind,
    dgxRecordMoving,
};
using TGridOptionsExt = TOptionSet<TGridOptionExt>;

enum class TDataGridAllowedOperation : unsigned { alopInsert, alopUpdate, alopDelete, alopAppend };
using TDataGridAllowedOperations = TOptionSet<TDataGridAllowedOperation>;

// What the grid's clipboard and selection keys may do.
enum class TDataGridEditAction : unsigned { geaCut, geaCopy, geaPaste, geaDelete, geaSelectAll };
using TDataGridEditActions = TOptionSet<TDataGridEditAction>;

enum class TSortMarker { smNone, smDown, smUp };
enum class TTextLayout { tlTop, tlCenter, tlBottom };
enum class TTitleOrientation { tohHorizontal, tohVertical };

} // namespace grid
